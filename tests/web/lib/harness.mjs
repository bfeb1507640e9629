// What the browser tests share: a browser of Debian's chromium per person (each with a fresh
// profile, so each logs in to a session of its own), and the moves of a person on the forms.
import { chromium } from 'playwright-core';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import assert from 'node:assert/strict';

export const URL = process.env.ZOV_WEB_URL;
if (!URL) throw new Error('ZOV_WEB_URL names the zov-web under test (tests/web/run sets it)');

const ARGS = ['--headless', '--no-sandbox', '--disable-gpu', '--disable-background-networking',
  '--disable-component-update', '--disable-sync', '--no-first-run'];

// The demo account set's users and their passwords (as the README lists them).
export const PASSWORDS = {
  admin: 'Admin@2026', wangxm: 'Wangxm@2026', lili: 'Lili@2026', sunq: 'Sunq@2026',
};

// A person at a browser, logged in as `user`. `responses` collects the text of every API
// response the page received.
export async function person(user, { width = 1400, height = 900 } = {}) {
  const profile = mkdtempSync(join(tmpdir(), 'zov-web-profile-'));
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: '/usr/bin/chromium', headless: true, args: ARGS, viewport: { width, height },
  });
  const page = context.pages()[0] || await context.newPage();
  const errors = [];
  const responses = [];
  page.on('pageerror', (e) => errors.push(e.message));
  page.on('response', async (r) => {
    if (!r.url().includes('/api/')) return;
    try {
      responses.push(await r.text());
    } catch {
      // a response the page did not wait for
    }
  });
  await page.goto(URL);
  await page.fill('#login-user', user);
  await page.fill('#login-password', PASSWORDS[user]);
  await page.click('#login-button');
  await page.waitForSelector('.start .card');
  return {
    page, context, errors, responses,
    async close() {
      await context.close();
      rmSync(profile, { recursive: true, force: true });
    },
  };
}

export const SALE = 1030002;

export async function newBill(page, classTypeId = SALE) {
  await page.goto(`${URL}/#/`);
  await page.click(`.card[data-class="${classTypeId}"] button[data-action="new"]`);
  await page.waitForSelector('.window.bill .entry-wrap td[data-row="1"]');
  await idle(page);
}

export async function openList(page, classTypeId = SALE) {
  await page.goto(`${URL}/#/`);
  await page.click(`.card[data-class="${classTypeId}"] button[data-action="list"]`);
  await page.waitForSelector('.window.list table.bills tbody');
  await idle(page);
}

// Waits until the page has no operation under way, or one waits for the person's answer.
export async function idle(page, timeout = 30000) {
  await page.waitForFunction(() => document.querySelector('.overlay')
    || (!document.querySelector('td.pending') && (document.body.dataset.busy || '0') === '0'), null, { timeout });
}

export const cell = (page, key, row) => page.locator(`.entry-wrap td[data-key="${key}"][data-row="${row}"]`);
export const head = (page, key) => page.locator(`.head input[data-field="${key}"]`);

// The grid draws only the rows in view: brings row `row` into view (as scrolling there would)
// and waits for its cells (a row not fetched yet comes from the host).
export async function showRow(page, row, grid = 1) {
  await page.evaluate(({ row, grid }) => document.querySelector(`.entry-wrap[data-grid="${grid}"]`).showRow(row), { row, grid });
  await page.locator(`.entry-wrap[data-grid="${grid}"] tr[data-row="${row}"]:not(.loading)`).waitFor();
}

export async function cellText(page, key, row) {
  await showRow(page, row);
  return (await cell(page, key, row).textContent()).trim();
}

// Types `text` into a cell as a person does: click, type, Enter.
export async function typeCell(page, key, row, text) {
  await showRow(page, row);
  await cell(page, key, row).click();
  await page.keyboard.type(String(text));
  await page.keyboard.press('Enter');
  await idle(page);
}

export async function typeHead(page, key, text) {
  await head(page, key).click();
  await head(page, key).fill(String(text));
  await page.keyboard.press('Enter');
  await idle(page);
}

// Clicks tool `key`: its tool-bar button, or else its menu item (opening the menu first).
export async function clickTool(page, key) {
  const button = page.locator(`.toolbar button[data-tool="${key}"]`);
  if (await button.count()) return button.first().click();
  const menu = page.locator('.menubar .menu', { has: page.locator(`button[data-tool="${key}"]`) });
  await menu.locator('.menu-title').click();
  await menu.locator(`button[data-tool="${key}"]`).click();
}

// The message box on screen: its text, title and button captions.
export async function messageBox(page) {
  const box = page.locator('.dialog[data-kind="msgbox"]');
  await box.waitFor();
  return {
    text: (await box.locator('.text').textContent()).trim(),
    title: (await box.locator('.dialog-title').textContent()).trim(),
    buttons: (await box.locator('.dialog-buttons button').allTextContents()).map((b) => b.trim()),
  };
}

export async function answer(page, caption) {
  await page.locator('.dialog .dialog-buttons button', { hasText: caption }).first().click();
  await page.locator(`.dialog[data-kind="msgbox"]`).waitFor({ state: 'detached' });
  await idle(page);
}

export function number(text) {
  return Number(String(text).replace(/,/g, '')) || 0;
}

export function assertClose(actual, expected, message) {
  assert.ok(Math.abs(actual - expected) < 0.0051, `${message}: ${actual} is not ${expected}`);
}

// A sales bill with customer C001 and item I001 on row 1, at `price` (when the price look-up
// gives none) and `qty`; returns the price the row has.
export async function saleBill(page, { qty = 3, price = 12.5 } = {}) {
  await newBill(page);
  await typeHead(page, 'FCustID', 'C001');
  await typeCell(page, 'FItemID', 1, 'I001');
  await typeCell(page, 'FShowQty', 1, qty);
  let shown = number(await cellText(page, 'FPrice', 1));
  if (!shown) {
    await typeCell(page, 'FPrice', 1, price);
    shown = number(await cellText(page, 'FPrice', 1));
  }
  return shown;
}

// Pastes `rows` (arrays of cell texts) into the grid at its cursor, as Ctrl+V of rows copied from
// a spreadsheet does.
export async function pasteRows(page, rows) {
  await page.evaluate((text) => {
    const data = new DataTransfer();
    data.setData('text/plain', text);
    document.querySelector('.entry-wrap[data-grid="1"]').dispatchEvent(new ClipboardEvent('paste', { clipboardData: data, bubbles: true, cancelable: true }));
  }, rows.map((r) => r.join('\t')).join('\r\n'));
  await idle(page, 600000);
}

// Runs T-SQL on the server's database through zov (another process on it, as people do).
export function sql(batch) {
  return JSON.parse(execFileSync(`${process.env.ZOV_BIN_DIR}/zov`, ['sql', '--db', process.env.ZOV_WEB_DB, batch], { encoding: 'utf8' })).resultSets;
}
