// Dialogs park the form's thread until the person answers: the question waits through a reload,
// the other windows of the session go on meanwhile, and the answer decides what happens. The
// reject-note dialog's OK button follows the library's form as the person types.
import { test, after, before } from 'node:test';
import assert from 'node:assert/strict';
import {
  person, openList, newBill, head, typeHead, clickTool, messageBox, answer, idle, saleBill, cellText, number, URL,
} from './lib/harness.mjs';

let admin;
before(async () => {
  admin = await person('admin');
});
after(async () => {
  await admin.close();
});

async function savedBill(page) {
  await saleBill(page, { qty: 1, price: 12.5 });
  await clickTool(page, 'mnuEditFileSave');
  await idle(page);
  const billNo = await head(page, 'FBillNo').inputValue();
  assert.match(billNo, /^XSD/);
  return billNo;
}

test('a question waits through a reload while the session\'s other windows go on', async () => {
  const { page, context } = admin;
  const billNo = await savedBill(page);
  await clickTool(page, 'mnuEditFileDelete');
  let box = await messageBox(page);
  assert.equal(box.text, '确定要删除这张单据吗？');
  assert.deepEqual(box.buttons, ['是', '否']);
  assert.equal(await page.locator('.dialog .icon.question').count(), 1);

  // Another window of the same session works while this one waits.
  const other = await context.newPage();
  await other.goto(`${URL}/#/`);
  await newBill(other);
  await typeHead(other, 'FCustID', 'C002');
  assert.match(await head(other, 'FCustID').inputValue(), /华联/);
  await other.close();

  // The question is still pending after a reload of the page.
  await page.reload();
  box = await messageBox(page);
  assert.equal(box.text, '确定要删除这张单据吗？');
  await answer(page, '否');
  assert.equal(await head(page, 'FBillNo').inputValue(), billNo, '"No" keeps the bill');

  await clickTool(page, 'mnuEditFileDelete');
  await messageBox(page);
  await answer(page, '是');
  assert.equal(await head(page, 'FBillNo').inputValue(), '', '"Yes" deletes it and starts a new bill');
  await openList(page);
  assert.equal(await page.locator(`table.bills tr[data-bill-no="${billNo}"]`).count(), 0);
});

test('a refusal shows the host\'s message and leaves the bill as it was', async () => {
  const { page, errors } = admin;
  await saleBill(page, { qty: 2, price: 12.5 });
  await typeHead(page, 'FCustID', 'C999');
  const box = await messageBox(page);
  assert.match(box.text, /C999/);
  await answer(page, '确定');
  assert.match(await head(page, 'FCustID').inputValue(), /联华/, 'the customer stays');
  assert.equal(number(await cellText(page, 'FShowQty', 1)), 2, 'the rows stay');
  await typeHead(page, 'FCustID', 'C002');
  assert.match(await head(page, 'FCustID').inputValue(), /华联/, 'and the page goes on');
  assert.equal(await page.locator('.errors').isHidden(), true, 'no errors to show');
  assert.deepEqual(errors, []);
});

test('the reject note: OK only while the trimmed note is not empty', async () => {
  const { page } = admin;
  const billNo = await savedBill(page);
  // The list's modify command opens the bill for editing, where it can be rejected.
  await openList(page);
  await page.locator(`table.bills tr[data-bill-no="${billNo}"]`).click();
  await page.click('.toolbar-row button[data-tool="modify"]');
  await page.waitForSelector('.window.bill');
  await idle(page);
  assert.match(await page.locator('.statusbar .state').textContent(), /^修改/);
  await clickTool(page, 'mnuReject');
  const dialog = page.locator('.dialog[data-kind="rejectNote"]');
  await dialog.waitFor();
  const ok = dialog.locator('.dialog-buttons button').first();
  assert.ok(await ok.isDisabled(), 'nothing typed yet');
  await dialog.locator('textarea').pressSequentially('   ');
  await idle(page);
  await page.waitForTimeout(200);
  assert.ok(await ok.isDisabled(), 'blanks are no note');
  await dialog.locator('textarea').pressSequentially('价格有误');
  await page.waitForFunction(() => !document.querySelector('.dialog[data-kind="rejectNote"] .dialog-buttons button').disabled);
  await ok.click();
  await dialog.waitFor({ state: 'detached' });
  await idle(page);
  assert.equal((await head(page, 'FRejectedNote').inputValue()).trim(), '价格有误');
});
