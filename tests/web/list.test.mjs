// The bill list: the saved bill shows up, is audited and un-audited as part of the selection,
// copying it opens a new bill form with its rows, and the list is filtered, sorted and exported.
import { test, after, before } from 'node:test';
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import {
  person, openList, head, cellText, clickTool, messageBox, answer, idle, saleBill, URL,
} from './lib/harness.mjs';

let admin;
let billNo;
before(async () => {
  admin = await person('admin');
  const { page } = admin;
  await saleBill(page, { qty: 2, price: 20 });
  await clickTool(page, 'mnuEditFileSave');
  await idle(page);
  billNo = await head(page, 'FBillNo').inputValue();
  assert.match(billNo, /^XSD/);
});
after(async () => {
  await admin.close();
});

const row = (page) => page.locator(`table.bills tbody tr[data-bill-no="${billNo}"]`);
const status = (page) => row(page).locator('td[data-key="FStatus"]').textContent();

test('the saved bill is listed; audit and un-audit act on the selection', async () => {
  const { page } = admin;
  await openList(page);
  assert.equal(await status(page), '未审核');

  // Nothing selected: the host says so and nothing changes.
  await clickTool(page, 'mnuEditCheck');
  const box = await messageBox(page);
  assert.equal(box.text, '请先选择单据。');
  await answer(page, '确定');

  await row(page).locator('input[type=checkbox]').check();
  await clickTool(page, 'mnuEditCheck');
  await idle(page);
  assert.equal(await status(page), '已审核');
  assert.ok(await row(page).locator('input[type=checkbox]').isChecked(), 'the selection survives the refresh');

  await clickTool(page, 'mnuEditUnCheck');
  await idle(page);
  assert.equal(await status(page), '未审核');
});

test('copy opens a new bill form holding the rows of the selected bill', async () => {
  const { page } = admin;
  await openList(page);
  await row(page).click();
  await clickTool(page, 'mnuEditCopy');
  await page.waitForSelector('.window.bill');
  await idle(page);
  assert.equal(await head(page, 'FBillNo').inputValue(), '', 'a copy has no number yet');
  assert.match(await cellText(page, 'FItemID', 1), /保温杯/);
  assert.equal(Number(await cellText(page, 'FShowQty', 1)), 2);
  // Closing the copy goes back to the list it came from.
  await page.click('.window.bill .titlebar button.close');
  await page.waitForSelector('.window.list');
  assert.ok(page.url().startsWith(`${URL}/#/list/`));
});

test('a double click opens the stored bill', async () => {
  const { page } = admin;
  await openList(page);
  await row(page).dblclick();
  await page.waitForSelector('.window.bill');
  await idle(page);
  assert.equal(await head(page, 'FBillNo').inputValue(), billNo);
  assert.equal(await page.locator('.statusbar .state').textContent(), '查看');
});

test('the filter chooses the bills, a caption sorts them, export saves them as CSV', async () => {
  const { page } = admin;
  await openList(page);
  const shown = () => page.locator('table.bills tbody tr').evaluateAll((rows) => rows.map((r) => r.dataset.billNo));
  const all = await shown();
  assert.ok(all.length > 1 && all.includes(billNo));

  // By bill number and customer (a part of the number or the name), by state, by dates.
  await page.fill('.list-filter input[data-filter="billNo"]', billNo.slice(-4));
  await page.fill('.list-filter input[data-filter="partner"]', '联华');
  await page.click('.list-filter button[data-action="search"]');
  await idle(page);
  assert.ok((await shown()).includes(billNo));
  assert.ok((await shown()).length < all.length);
  await page.selectOption('.list-filter select[data-filter="status"]', '1');
  await page.click('.list-filter button[data-action="search"]');
  await idle(page);
  assert.ok(!(await shown()).includes(billNo), 'the bill is not audited');
  await page.click('.list-filter button[data-action="clear"]');
  await idle(page);
  await page.fill('.list-filter input[data-filter="dateTo"]', '2000-01-31');
  await page.click('.list-filter button[data-action="search"]');
  await idle(page);
  assert.deepEqual(await shown(), []);
  await page.click('.list-filter button[data-action="clear"]');
  await idle(page);
  assert.deepEqual(await shown(), all);

  // A caption sorts; a second click sorts the other way round.
  await page.click('table.bills thead th[data-key="FBillNo"]');
  await idle(page);
  const up = await shown();
  assert.deepEqual(up, [...all].sort());
  await page.click('table.bills thead th[data-key="FBillNo"]');
  await idle(page);
  assert.deepEqual(await shown(), [...up].reverse());
  assert.equal(await page.locator('table.bills thead th[data-key="FBillNo"]').getAttribute('aria-sort'), 'descending');

  // The export: what the list shows, UTF-8 with a byte order mark for spreadsheet programs.
  const [download] = await Promise.all([page.waitForEvent('download'), page.click('button[data-tool="export"]')]);
  assert.equal(download.suggestedFilename(), '销售单列表.csv');
  const bytes = readFileSync(await download.path());
  assert.deepEqual([...bytes.subarray(0, 3)], [0xef, 0xbb, 0xbf]);
  const lines = bytes.subarray(3).toString('utf8').split('\r\n');
  assert.match(lines[0], /^单据编号,日期,/);
  assert.equal(lines.filter((l) => l).length, all.length + 1);
  assert.ok(lines[1].startsWith(up[up.length - 1]), 'in the order shown');
  assert.ok(lines.some((l) => l.startsWith(billNo) && l.includes('联华')));
});
