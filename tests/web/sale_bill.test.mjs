// A person enters a sales bill: customer from the pick list, item by its number, quantity and
// price, sees the row's amounts computed, is refused on a discount of 0 and saves once fixed.
import { test, after, before } from 'node:test';
import assert from 'node:assert/strict';
import {
  person, newBill, cell, cellText, head, typeCell, typeHead, clickTool, messageBox, answer, idle, number,
  assertClose, saleBill,
} from './lib/harness.mjs';

let admin;
before(async () => {
  admin = await person('admin');
});
after(async () => {
  await admin.close();
});

test('the customer comes from the pick list, searched by name', async () => {
  const { page } = admin;
  await newBill(page);
  await head(page, 'FCustID').click();
  await page.keyboard.press('F7');
  const pick = page.locator('.dialog[data-kind="pick"]');
  await pick.waitFor();
  await pick.locator('tbody tr').first().waitFor();
  const all = await pick.locator('tbody tr').count();
  await pick.locator('input.filter').fill('联华');
  await page.waitForFunction((all) => document.querySelectorAll('.dialog[data-kind="pick"] tbody tr').length < all, all);
  assert.deepEqual(await pick.locator('tbody tr').evaluateAll((rows) => rows.map((r) => r.dataset.number)), ['C001'],
    'the search keeps only the matching customer');
  await page.keyboard.press('Enter');
  await pick.waitFor({ state: 'detached' });
  await idle(page);
  assert.match(await head(page, 'FCustID').inputValue(), /联华/);
});

test('a row takes its item by number and computes its amounts', async () => {
  const { page, errors } = admin;
  const price = await saleBill(page, { qty: 3, price: 12.5 });
  assert.match(await cellText(page, 'FItemID', 1), /保温杯/);
  const rate = number(await cellText(page, 'FTaxRate', 1));
  const discount = number(await cellText(page, 'FDiscountRate', 1)) || 100;
  const amount = Math.round(3 * price * discount) / 100;
  assertClose(number(await cellText(page, 'FAmount', 1)), amount, 'amount');
  assertClose(number(await cellText(page, 'FInTaxAmount', 1)), Math.round(amount * (100 + rate)) / 100, 'amount with tax');
  assert.deepEqual(errors, []);
});

test('a discount of 0 is refused on save; fixed, the bill saves and gets its number', async () => {
  const { page } = admin;
  await saleBill(page);
  await typeCell(page, 'FDiscountRate', 1, '0');
  await clickTool(page, 'mnuEditFileSave');
  const box = await messageBox(page);
  assert.match(box.text, /^第1行折扣率必须大于0/);
  assert.deepEqual(box.buttons, ['确定']);
  await answer(page, '确定');
  // Refused: nothing saved, nothing lost, and the cursor on the offending cell.
  await page.locator('.entry-wrap td.cursor[data-key="FDiscountRate"][data-row="1"]').waitFor();
  assert.equal(await head(page, 'FBillNo').inputValue(), '');
  assert.equal(await cellText(page, 'FDiscountRate', 1), '0.00');
  assert.match(await cellText(page, 'FItemID', 1), /保温杯/);

  await typeCell(page, 'FDiscountRate', 1, '100');
  await clickTool(page, 'mnuEditFileSave');
  await idle(page);
  assert.match(await head(page, 'FBillNo').inputValue(), /^XSD\d+/);
  assert.equal(await page.locator('.statusbar .state').textContent(), '查看');
});

test('keyboard: Enter moves on, past the last row a row is added; Esc cancels', async () => {
  const { page } = admin;
  await saleBill(page);
  await cell(page, 'FShowQty', 1).click();
  await page.keyboard.type('9');
  await page.keyboard.press('Escape');
  assert.equal(number(await cellText(page, 'FShowQty', 1)), 3, 'Esc leaves the cell as it was');
  // From the last editable column of the last row, Enter adds a row and goes to it.
  const last = await page.locator('.entry-wrap tr[data-row="1"] td:not(.ro)').last().getAttribute('data-key');
  await cell(page, last, 1).click();
  await page.keyboard.press('Enter');
  await page.locator('.entry-wrap tr[data-row="2"] td.cursor').waitFor();
  await idle(page);
  await page.keyboard.type('I002');
  await page.keyboard.press('Enter');
  await idle(page);
  assert.match(await cellText(page, 'FItemID', 2), /矿泉水/);
});
